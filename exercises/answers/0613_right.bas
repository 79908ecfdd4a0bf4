' Question 613: saved as the template Thor.xlt in the course's templates folder, then closed.
' expect: ""
ActiveWorkbook.SaveAs Filename:=Application.TemplatesPath & "ZEQ Modèles\Thor.xlt", FileFormat:=xlTemplate
ActiveWorkbook.Close
#check
