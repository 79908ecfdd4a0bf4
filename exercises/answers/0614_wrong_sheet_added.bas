' Question 614: a sheet added to the new workbook.
' expect: B
Workbooks.Add Template:=Application.TemplatesPath & "ZEQ Modèles\Thor.xlt"
Sheets.Add
#check
