' Question 615: the first box chosen, Format Control, Control, Checked.
' expect: ""
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
    Range("A1").Select
End Sub
#check
