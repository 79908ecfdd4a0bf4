' Question 607: the rows 9 to 12 hidden.
' expect: ""
Rows("9:12").Hidden = True
#check
