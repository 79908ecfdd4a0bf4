' Question 602: the custom list imported from the countries of A4:A6.
' expect: ""
Application.AddCustomList ListArray:=Range("A4:A6")
#check
