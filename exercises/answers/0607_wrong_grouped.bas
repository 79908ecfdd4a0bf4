' Question 607: the rows 9 to 12 grouped and the group collapsed.
' expect: C
Rows("9:12").Group
ActiveSheet.Outline.ShowLevels RowLevels:=1
#check
