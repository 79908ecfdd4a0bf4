' Question 608: a cell of the list chosen, Data, Subtotals, Remove All.
' expect: ""
Sub Macro1()
'
' Macro1 Macro
' Macro enregistrée le 07/12/2026 par Stagiaire
'

'
    Range("A3").Select
    Selection.RemoveSubtotal
End Sub
#check
