' Question 608: the subtotals removed (Data, Subtotals, Remove All).
' expect: ""
Range("A3").RemoveSubtotal
#check
