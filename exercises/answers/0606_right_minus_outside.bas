' Question 606: the other accepted form, @-"52".
' expect: ""
Range("D1").NumberFormat = "@-""52"""
#check
