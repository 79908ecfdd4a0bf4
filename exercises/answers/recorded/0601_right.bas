' Question 601: D1 selected, 09854895 typed with its apostrophe, Enter.
' expect: ""
Sub Macro1()
'
' Macro1 Macro
' Macro enregistrée le 07/12/2026 par Stagiaire
'

'
    Range("D1").Select
    ActiveCell.FormulaR1C1 = "'09854895"
    Range("D2").Select
End Sub
#check
