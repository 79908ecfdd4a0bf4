' Question 601: the number typed without the apostrophe; Excel drops its leading zero.
' expect: C
Sub Macro1()
'
' Macro1 Macro
' Macro enregistrée le 07/12/2026 par Stagiaire
'

'
    Range("D1").Select
    ActiveCell.FormulaR1C1 = "9854895"
    Range("D2").Select
End Sub
#check
