' Question 606: the same display by the format @\-52.
' expect: B
Sub Macro1()
'
' Macro1 Macro
' Macro enregistrée le 07/12/2026 par Stagiaire
'

'
    Range("D1").Select
    Selection.NumberFormat = "@\-52"
End Sub
#check
