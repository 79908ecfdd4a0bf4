' Question 604: the table copied, then pasted on A9 with Edit, Paste Special, Transpose
' (everything pasted: the totals stay formulas, on the swapped cells).
' expect: ""
Range("A3:D7").Copy
Range("A9").PasteSpecial Paste:=xlPasteAll, Transpose:=True
#check
