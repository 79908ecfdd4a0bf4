' Question 614: the new workbook saved; it is no longer a new one.
' expect: A
Workbooks.Add Template:=Application.TemplatesPath & "ZEQ Modèles\Thor.xlt"
ActiveWorkbook.SaveAs Filename:="Thor1.xls"
#check
