' Question 615: both boxes ticked through Format Control, Control: Checked, no cell link, no 3-D shading.
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
        .LinkedCell = ""
        .Display3DShading = False
    End With
    ActiveSheet.Shapes("Case à cocher 2").Select
    With Selection
        .Value = xlOn
        .LinkedCell = ""
        .Display3DShading = False
    End With
    Range("A1").Select
End Sub
#check
