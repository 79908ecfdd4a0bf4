' Question 606: the suffix typed into the cell instead of a format.
' expect: A
Range("D1").Value = "'09854895-52"
#check
