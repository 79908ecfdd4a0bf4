' Question 614: a new workbook made from the template Thor.xlt (File, New).
' expect: ""
Workbooks.Add Template:=Application.TemplatesPath & "ZEQ Modèles\Thor.xlt"
#check
