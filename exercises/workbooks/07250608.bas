' "07250608.xls", the working copy "Thor International.xls" of question 608:
' the list of "détail" carries automatic subtotals by country, which the
' trainee removes.
Workbooks.Add -4167   ' xlWBATWorksheet: a workbook of one sheet
#include parts/detail.bas
Range("A3").Subtotal GroupBy:=1, Function:=xlSum, TotalList:=Array(4), Replace:=True
Sheets.Add After:=Sheets(1)
#include parts/trimestre_1.bas
Sheets("détail").Activate
ActiveWorkbook.SaveAs Filename:="07250608.xls"
