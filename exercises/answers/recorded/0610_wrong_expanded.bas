' Question 610: the rows grouped and the group left open.
' expect: D
Sub Macro1()
'
' Macro1 Macro
' Macro enregistrée le 07/12/2026 par Stagiaire
'

'
    Sheets("Trimestre 1").Select
    Rows("4:6").Select
    Selection.Rows.Group
End Sub
#check
