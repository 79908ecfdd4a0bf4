' Question 601: the capital letter O typed instead of the digit zero.
' expect: B
Range("D1").Value = "O9854895"
#check
