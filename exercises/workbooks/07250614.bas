' "07250614.xlt", delivered as the template "Thor.xlt" of question 614: the
' trainee makes a new workbook from it. The form of the chapter's table
' without its figures: headings, labels, totals, and in A2 the average of
' question 605 that stays blank until figures are typed.
Workbooks.Add -4167   ' xlWBATWorksheet: a workbook of one sheet
ActiveSheet.Name = "Trimestre 1"
Range("A1").Value = "Thor International : ventes du trimestre"
Range("A1").Font.Bold = True
Range("A2").Formula = "=IF(B7>0,AVERAGE(B4:D4,B6:D6),"""")"
#include parts/en_tetes.bas
Range("A4").Value = "España"
Range("A5").Value = "France"
Range("A6").Value = "UK"
Range("A7").Value = "Total"
Range("A7").Font.Bold = True
Range("B7").Formula = "=SUM(B4:B6)"
Range("C7").Formula = "=SUM(C4:C6)"
Range("D7").Formula = "=SUM(D4:D6)"
Range("F13").AddComment "Ne pas supprimer ce commentaire. Merci !"
Range("B4").Select
ActiveWorkbook.SaveAs Filename:="07250614.xlt", FileFormat:=xlTemplate
