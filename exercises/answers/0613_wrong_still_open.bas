' Question 613: the template saved but left open.
' expect: B
ActiveWorkbook.SaveAs Filename:=Application.TemplatesPath & "ZEQ Modèles\Thor.xlt", FileFormat:=xlTemplate
#check
