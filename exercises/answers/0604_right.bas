' Question 604: the table copied and pasted with Paste Special, Values and Transpose.
' expect: ""
Range("A3:D7").Copy
Range("A9").PasteSpecial Paste:=xlPasteValues, Transpose:=True
#check
