' Question 614: File, Open on Thor.xlt: the template itself opened for editing, no new workbook.
' expect: A
Sub Macro1()
'
' Macro1 Macro
' Macro enregistrée le 07/12/2026 par Stagiaire
'

'
    Workbooks.Open Filename:= _
        Application.TemplatesPath & "ZEQ Modèles\Thor.xlt", Editable:=True
End Sub
#check
