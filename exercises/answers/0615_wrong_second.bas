' Question 615: the second box ticked.
' expect: B
ActiveSheet.CheckBoxes("Case à cocher 2").Value = xlOn
#check
