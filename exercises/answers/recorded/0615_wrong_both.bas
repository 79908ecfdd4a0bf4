' Question 615: both boxes ticked.
' expect: B
Sub Macro1()
'
' Macro1 Macro
' Macro enregistrée le 07/12/2026 par Stagiaire
'

'
    ActiveSheet.Shapes("Case à cocher 1").Select
    With Selection
        .Value = xlOn
    End With
    ActiveSheet.Shapes("Case à cocher 2").Select
    With Selection
        .Value = xlOn
    End With
    Range("A1").Select
End Sub
#check
