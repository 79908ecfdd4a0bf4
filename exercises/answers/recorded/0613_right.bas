' Question 613: File, Save As, type Template, in the course's templates folder, then File, Close.
' expect: ""
' (The recorder writes the folder as a literal path of the machine; here it is
' the application's templates folder, which stands where that path points.)
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
    ActiveWorkbook.Close
End Sub
#check
