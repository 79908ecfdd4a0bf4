' Question 605: the right value, but by a sum divided by five.
' expect: C
Range("A2").Formula = "=SUM(B4:D4,B6:D6)/5"
#check
