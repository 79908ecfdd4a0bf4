' Question 604: the table copied as it is, rows and columns not swapped.
' expect: A
Range("A3:D7").Copy Destination:=Range("A9")
#check
