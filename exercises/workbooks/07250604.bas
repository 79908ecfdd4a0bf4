' "07250604.xls", the working copy "Thor International.xls" of question 604:
' the trainee copies the table into A9:E12 with its rows and columns
' swapped.
Workbooks.Add -4167   ' xlWBATWorksheet: a workbook of one sheet
#include parts/trimestre_1.bas
ActiveWorkbook.SaveAs Filename:="07250604.xls"
