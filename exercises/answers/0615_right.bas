' Question 615: the first box ticked, alone.
' expect: ""
ActiveSheet.CheckBoxes("Case à cocher 1").Value = xlOn
#check
