' Question 610: the rows 4 to 6 grouped (Data, Group and Outline, Group), then the level button 1.
' expect: ""
Sub Macro1()
'
' Macro1 Macro
' Macro enregistrée le 07/12/2026 par Stagiaire
'

'
    Sheets("Trimestre 1").Select
    Rows("4:6").Select
    Selection.Rows.Group
    ActiveSheet.Outline.ShowLevels RowLevels:=1
End Sub
#check
