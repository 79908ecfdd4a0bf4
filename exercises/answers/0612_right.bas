' Question 612: the style "Titre bleu", bold, italic, colour 55.
' expect: ""
ActiveWorkbook.Styles.Add Name:="Titre bleu"
With ActiveWorkbook.Styles("Titre bleu").Font
    .Bold = True
    .Italic = True
    .ColorIndex = 55
End With
#check
