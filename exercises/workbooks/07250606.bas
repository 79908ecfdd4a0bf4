' "07250606.xls", the working copy "Thor International.xls" of question 606:
' D1 holds the telephone number of question 601 as text; the trainee makes
' it show the suffix -52 through a number format, without typing it.
Workbooks.Add -4167   ' xlWBATWorksheet: a workbook of one sheet
#include parts/trimestre_1.bas
Range("D1").Value = "'09854895"
ActiveWorkbook.SaveAs Filename:="07250606.xls"
