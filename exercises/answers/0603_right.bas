' Question 603: the name "Zone" redefined on the figures C4:C7.
' expect: ""
ActiveWorkbook.Names.Add Name:="Zone", RefersTo:="='Trimestre 1'!$C$4:$C$7"
#check
