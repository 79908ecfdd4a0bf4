' "07250611.xls", the working copy "Thor International.xls" of question 611:
' the trainee records the custom view "123" of "Trimestre 1" (zoom 110,
' rows 4 and 5 shown, portrait, centred horizontally). Delivered with
' "Trimestre 1" active, the sheet the view is made on.
Workbooks.Add -4167   ' xlWBATWorksheet: a workbook of one sheet
#include parts/detail.bas
Sheets.Add After:=Sheets(1)
#include parts/trimestre_1.bas
Sheets("Trimestre 1").Activate
ActiveWorkbook.SaveAs Filename:="07250611.xls"
