' Question 608: the outline's level button 2: the detail hidden, the subtotals kept.
' expect: A
Sub Macro1()
'
' Macro1 Macro
' Macro enregistrée le 07/12/2026 par Stagiaire
'

'
    ActiveSheet.Outline.ShowLevels RowLevels:=2
End Sub
#check
