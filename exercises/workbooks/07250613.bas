' "07250613.xls", the working copy "Thor International.xls" of question 613:
' the trainee saves the workbook as the template "Thor.xlt" in the
' course's templates folder and closes it.
Workbooks.Add -4167   ' xlWBATWorksheet: a workbook of one sheet
#include parts/trimestre_1.bas
ActiveWorkbook.SaveAs Filename:="07250613.xls"
