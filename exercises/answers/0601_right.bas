' Question 601: the number typed as text; the apostrophe keeps its leading zero.
' expect: ""
Range("D1").Value = "'09854895"
#check
