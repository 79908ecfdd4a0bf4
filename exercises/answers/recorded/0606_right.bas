' Question 606: Format, Cells, Number, Custom: @"-52".
' expect: ""
Sub Macro1()
'
' Macro1 Macro
' Macro enregistrée le 07/12/2026 par Stagiaire
'

'
    Range("D1").Select
    Selection.NumberFormat = "@""-52"""
End Sub
#check
