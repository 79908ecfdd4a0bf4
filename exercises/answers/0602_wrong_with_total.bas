' Question 602: the list imported with the label "Total" of A7.
' expect: A
Application.AddCustomList ListArray:=Range("A4:A7")
#check
