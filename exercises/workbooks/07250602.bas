' "07250602.xls", the working copy "Thor International.xls" of question 602:
' the trainee makes a custom list of the countries of A4:A6.
Workbooks.Add -4167   ' xlWBATWorksheet: a workbook of one sheet
#include parts/trimestre_1.bas
ActiveWorkbook.SaveAs Filename:="07250602.xls"
