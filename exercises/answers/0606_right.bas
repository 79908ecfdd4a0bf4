' Question 606: the custom text format @"-52".
' expect: ""
Range("D1").NumberFormat = "@""-52"""
#check
