' "07250603.xls", the working copy "Thor International.xls" of question 603:
' the trainee redefines the name "Zone", which covers C4:C8, to cover
' the figures C4:C7 only.
Workbooks.Add -4167   ' xlWBATWorksheet: a workbook of one sheet
#include parts/trimestre_1.bas
ActiveWorkbook.SaveAs Filename:="07250603.xls"
