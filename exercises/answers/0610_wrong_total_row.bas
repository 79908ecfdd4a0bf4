' Question 610: the total row taken into the group.
' expect: C
Sheets("Trimestre 1").Activate
Rows("4:7").Group
ActiveSheet.Outline.ShowLevels RowLevels:=1
#check
