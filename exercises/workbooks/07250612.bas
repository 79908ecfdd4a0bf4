' "07250612.xls", the working copy "Thor International.xls" of question 612:
' the trainee creates the cell style "Titre bleu" (bold, italic, colour
' index 55).
Workbooks.Add -4167   ' xlWBATWorksheet: a workbook of one sheet
#include parts/detail.bas
Sheets.Add After:=Sheets(1)
#include parts/trimestre_1.bas
Sheets("détail").Activate
ActiveWorkbook.SaveAs Filename:="07250612.xls"
