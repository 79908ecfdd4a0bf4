' Question 612: Format, Style, "Titre bleu" typed, Modify, Font: bold italic, colour 55.
' expect: ""
Sub Macro1()
'
' Macro1 Macro
' Macro enregistrée le 07/12/2026 par Stagiaire
'

'
    ActiveWorkbook.Styles.Add Name:="Titre bleu"
    With ActiveWorkbook.Styles("Titre bleu")
        .IncludeNumber = True
        .IncludeFont = True
        .IncludeAlignment = True
        .IncludeBorder = True
        .IncludePatterns = True
        .IncludeProtection = True
    End With
    With ActiveWorkbook.Styles("Titre bleu").Font
        .Name = "Arial"
        .Size = 10
        .Bold = True
        .Italic = True
        .Underline = xlUnderlineStyleNone
        .Strikethrough = False
        .Superscript = False
        .Subscript = False
        .OutlineFont = False
        .Shadow = False
        .ColorIndex = 55
    End With
End Sub
#check
