' Question 606: the same display by a format with a backslash, @\-52.
' expect: B
Range("D1").NumberFormat = "@\-52"
#check
