' "07250609.xls", the working copy "Thor International.xls" of question 609:
' the trainee hides the workbook's window and leaves it open.
Workbooks.Add -4167   ' xlWBATWorksheet: a workbook of one sheet
#include parts/trimestre_1.bas
ActiveWorkbook.SaveAs Filename:="07250609.xls"
