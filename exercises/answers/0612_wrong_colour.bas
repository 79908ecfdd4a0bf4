' Question 612: the style made with the colour of index 5.
' expect: B
ActiveWorkbook.Styles.Add Name:="Titre bleu"
With ActiveWorkbook.Styles("Titre bleu").Font
    .Bold = True
    .Italic = True
    .ColorIndex = 5
End With
#check
