' Question 607: the rows 9 to 12 selected, Format, Row, Hide.
' expect: ""
Sub Macro1()
'
' Macro1 Macro
' Macro enregistrée le 07/12/2026 par Stagiaire
'

'
    Rows("9:12").Select
    Selection.EntireRow.Hidden = True
End Sub
#check
