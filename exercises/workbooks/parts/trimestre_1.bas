' The chapter's table: sales of the first quarter by country, on the active
' sheet, which becomes "Trimestre 1". A2 and A3 stay empty (question 605
' writes its average into A2); B4 holds a single space, a country without
' sales that month. The notes of E3, A8 and F13 mark the table's frame: the
' checks refuse a workbook that lost them.
ActiveSheet.Name = "Trimestre 1"
Range("A1").Value = "Thor International : ventes du premier trimestre"
Range("A1").Font.Bold = True
Range("C1").Value = "Téléphone :"
#include en_tetes.bas
Range("A4").Value = "España"
Range("A5").Value = "France."
Range("A6").Value = "UK"
Range("A7").Value = "Total"
Range("A7").Font.Bold = True
Range("B4").Value = " "
Range("C4").Value = 118
Range("D4").Value = 125
Range("B5").Value = 125
Range("C5").Value = 100
Range("D5").Value = 150
Range("B6").Value = 135
Range("C6").Value = 97
Range("D6").Value = 110
Range("B7").Formula = "=SUM(B4:B6)"
Range("C7").Formula = "=SUM(C4:C6)"
Range("D7").Formula = "=SUM(D4:D6)"
Range("E3").AddComment "Ne pas supprimer ce commentaire. Merci !"
Range("A8").AddComment "Ne pas supprimer ce commentaire. Merci !"
Range("F13").AddComment "Ne pas supprimer ce commentaire. Merci !"
ActiveWorkbook.Names.Add Name:="Zone", RefersTo:="='Trimestre 1'!$C$4:$C$8"
Range("A1").Select
