' Question 603: the name redefined, but the figure of C6 cleared on the way.
' expect: A
ActiveWorkbook.Names.Add Name:="Zone", RefersTo:="='Trimestre 1'!$C$4:$C$7"
Range("C6").ClearContents
#check
