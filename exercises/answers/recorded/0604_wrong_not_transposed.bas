' Question 604: A3:D7 copied and pasted with Edit, Paste: not transposed.
' expect: A
Sub Macro1()
'
' Macro1 Macro
' Macro enregistrée le 07/12/2026 par Stagiaire
'

'
    Range("A3:D7").Select
    Selection.Copy
    Range("A9").Select
    ActiveSheet.Paste
    Application.CutCopyMode = False
End Sub
#check
