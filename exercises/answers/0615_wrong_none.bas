' Question 615: no box ticked.
' expect: A
#check
