' Question 607: the rows 9 to 13 hidden, one too many.
' expect: D
Rows("9:13").Hidden = True
#check
