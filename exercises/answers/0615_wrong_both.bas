' Question 615: both boxes ticked.
' expect: B
ActiveSheet.CheckBoxes("Case à cocher 1").Value = xlOn
ActiveSheet.CheckBoxes("Case à cocher 2").Value = xlOn
#check
