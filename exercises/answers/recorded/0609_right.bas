' Question 609: Window, Hide.
' expect: ""
Sub Macro1()
'
' Macro1 Macro
' Macro enregistrée le 07/12/2026 par Stagiaire
'

'
    ActiveWindow.Visible = False
End Sub
#check
