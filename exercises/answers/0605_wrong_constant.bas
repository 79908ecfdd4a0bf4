' Question 605: the value 117 typed instead of a formula.
' expect: D
Range("A2").Value = 117
#check
