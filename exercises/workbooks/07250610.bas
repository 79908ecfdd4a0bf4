' "07250610.xls", the working copy "Thor International.xls" of question 610:
' on "Trimestre 1", the trainee groups the rows of the countries (4 to 6)
' and collapses the group.
Workbooks.Add -4167   ' xlWBATWorksheet: a workbook of one sheet
#include parts/detail.bas
Sheets.Add After:=Sheets(1)
#include parts/trimestre_1.bas
Sheets("détail").Activate
ActiveWorkbook.SaveAs Filename:="07250610.xls"
