' Question 610: the rows of the countries grouped and the group collapsed.
' expect: ""
Sheets("Trimestre 1").Activate
Rows("4:6").Group
ActiveSheet.Outline.ShowLevels RowLevels:=1
#check
