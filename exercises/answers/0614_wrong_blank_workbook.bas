' Question 614: a blank workbook made instead of one from the template.
' expect: B
Workbooks.Add
#check
