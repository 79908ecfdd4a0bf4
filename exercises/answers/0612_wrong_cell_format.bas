' Question 612: a cell formatted by hand; no style made.
' expect: A
With Range("A1").Font
    .Bold = True
    .Italic = True
    .ColorIndex = 55
End With
#check
