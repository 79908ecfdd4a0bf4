' Question 604: the table typed by hand, the months typed as numbers (1, not "01").
' expect: A
Range("B9").Value = "España"
Range("C9").Value = "France."
Range("D9").Value = "UK"
Range("E9").Value = "Total"
Range("A10").Value = "01"
Range("A11").Value = "02"
Range("A12").Value = "03"
Range("B10").Value = " "
Range("C10").Value = 125
Range("D10").Value = 135
Range("E10").Formula = "=SUM(B10:D10)"
Range("B11").Value = 118
Range("C11").Value = 100
Range("D11").Value = 97
Range("E11").Formula = "=SUM(B11:D11)"
Range("B12").Value = 125
Range("C12").Value = 150
Range("D12").Value = 110
Range("E12").Formula = "=SUM(B12:D12)"
#check
