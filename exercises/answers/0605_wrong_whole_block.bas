' Question 605: the average of the whole block, France. included (120).
' expect: B
Range("A2").Formula = "=AVERAGE(B4:D6)"
#check
