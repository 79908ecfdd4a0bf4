' Question 613: the template saved but the workbook left open.
' expect: B
Sub Macro1()
'
' Macro1 Macro
' Macro enregistrée le 07/12/2026 par Stagiaire
'

'
    ActiveWorkbook.SaveAs Filename:= _
        Application.TemplatesPath & "ZEQ Modèles\Thor.xlt", FileFormat:= _
        xlTemplate, Password:="", WriteResPassword:="", ReadOnlyRecommended:=False _
        , CreateBackup:=False
End Sub
#check
