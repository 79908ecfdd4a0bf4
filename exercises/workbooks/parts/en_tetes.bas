' The month headings of the chapter's table, B3:D3 of the active sheet.
' They are texts ("01", not the number 1), as the trainee reads them, and
' carry the heading format the template of question 614 is checked for.
Range("B3").Value = "'01"
Range("C3").Value = "'02"
Range("D3").Value = "'03"
With Range("B3:D3")
    .HorizontalAlignment = xlCenter
    .VerticalAlignment = xlBottom
    .Font.Bold = True
    .Interior.ColorIndex = 47
    .Interior.Pattern = xlSolid
    .Interior.PatternColorIndex = 17
End With
