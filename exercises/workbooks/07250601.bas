' "07250601.xls", the working copy "Thor International.xls" of question 601:
' the trainee types the telephone number 09854895 into D1 so that its
' leading zero stays.
Workbooks.Add -4167   ' xlWBATWorksheet: a workbook of one sheet
#include parts/trimestre_1.bas
ActiveWorkbook.SaveAs Filename:="07250601.xls"
