' Question 601: the number typed as a number, so that its leading zero is lost.
' expect: C
Range("D1").Value = "09854895"
#check
