' "07250605.xls", the working copy "Thor International.xls" of question 605:
' the trainee writes into A2 the average of the months of España and
' UK.
Workbooks.Add -4167   ' xlWBATWorksheet: a workbook of one sheet
#include parts/trimestre_1.bas
ActiveWorkbook.SaveAs Filename:="07250605.xls"
