' The detail of the quarter's sales on the active sheet, which becomes
' "détail": one line per country, month and product, sorted by country, so
' that automatic subtotals by country fall on the rows the course expects
' (totals at rows 10, 16 and 22, the grand total at row 23). The figures add
' up to those of the sheet "Trimestre 1".
ActiveSheet.Name = "détail"
Range("A1").Value = "Thor International : détail des ventes du premier trimestre"
Range("A1").Font.Bold = True
Range("A3").Value = "Pays"
Range("B3").Value = "Mois"
Range("C3").Value = "Produit"
Range("D3").Value = "Montant"
Range("A3:D3").Font.Bold = True
Range("A4:A9").Value = "España"
Range("A10:A14").Value = "France"
Range("A15:A19").Value = "UK"
Range("B4:B6").Value = "'02"
Range("B7:B9").Value = "'03"
Range("B10:B11").Value = "'01"
Range("B12").Value = "'02"
Range("B13:B14").Value = "'03"
Range("B15:B16").Value = "'01"
Range("B17").Value = "'02"
Range("B18:B19").Value = "'03"
Range("C4").Value = "Marteaux"
Range("C5").Value = "Enclumes"
Range("C6").Value = "Casques"
Range("C7").Value = "Marteaux"
Range("C8").Value = "Enclumes"
Range("C9").Value = "Casques"
Range("C10").Value = "Marteaux"
Range("C11").Value = "Casques"
Range("C12").Value = "Marteaux"
Range("C13").Value = "Marteaux"
Range("C14").Value = "Enclumes"
Range("C15").Value = "Marteaux"
Range("C16").Value = "Enclumes"
Range("C17").Value = "Casques"
Range("C18").Value = "Marteaux"
Range("C19").Value = "Casques"
Range("D4").Value = 30
Range("D5").Value = 40
Range("D6").Value = 48
Range("D7").Value = 40
Range("D8").Value = 45
Range("D9").Value = 40
Range("D10").Value = 60
Range("D11").Value = 65
Range("D12").Value = 100
Range("D13").Value = 70
Range("D14").Value = 80
Range("D15").Value = 60
Range("D16").Value = 75
Range("D17").Value = 97
Range("D18").Value = 50
Range("D19").Value = 60
Range("A1").Select
