' Question 614: File, New, the template Thor of the tab ZEQ Modèles.
' expect: ""
Sub Macro1()
'
' Macro1 Macro
' Macro enregistrée le 07/12/2026 par Stagiaire
'

'
    Workbooks.Add Template:= _
        Application.TemplatesPath & "ZEQ Modèles\Thor.xlt"
End Sub
#check
