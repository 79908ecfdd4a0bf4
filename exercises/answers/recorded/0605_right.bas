' Question 605: A2 selected, =AVERAGE(B4:D4;B6:D6) typed (the recorder writes it in R1C1).
' expect: ""
Sub Macro1()
'
' Macro1 Macro
' Macro enregistrée le 07/12/2026 par Stagiaire
'

'
    Range("A2").Select
    ActiveCell.FormulaR1C1 = "=AVERAGE(R[2]C[1]:R[2]C[3],R[4]C[1]:R[4]C[3])"
    Range("A3").Select
End Sub
#check
