' Question 605: the average of the rows of España and UK.
' expect: ""
Range("A2").Formula = "=AVERAGE(B4:D4,B6:D6)"
#check
