' Question 605: the average of the whole block B4:D6, France. included.
' expect: B
Sub Macro1()
'
' Macro1 Macro
' Macro enregistrée le 07/12/2026 par Stagiaire
'

'
    Range("A2").Select
    ActiveCell.FormulaR1C1 = "=AVERAGE(R[2]C[1]:R[4]C[3])"
    Range("A3").Select
End Sub
#check
