' Question 601: nothing typed.
' expect: A
#check
