' Question 610: the rows grouped, the group left expanded.
' expect: D
Sheets("Trimestre 1").Activate
Rows("4:6").Group
#check
