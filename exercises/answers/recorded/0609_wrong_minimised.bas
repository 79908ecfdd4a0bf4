' Question 609: the window's minimise button; it is still visible.
' expect: B
Sub Macro1()
'
' Macro1 Macro
' Macro enregistrée le 07/12/2026 par Stagiaire
'

'
    ActiveWindow.WindowState = xlMinimized
End Sub
#check
