' Question 607: Data, Group and Outline, Group, then the level button 1.
' expect: C
Sub Macro1()
'
' Macro1 Macro
' Macro enregistrée le 07/12/2026 par Stagiaire
'

'
    Rows("9:12").Select
    Selection.Rows.Group
    ActiveSheet.Outline.ShowLevels RowLevels:=1
End Sub
#check
