' Question 608: the detail hidden by the outline; the subtotals stay.
' expect: A
ActiveSheet.Outline.ShowLevels RowLevels:=2
#check
