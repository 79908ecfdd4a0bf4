' Question 609: the workbook closed instead of its window hidden.
' expect: A
ActiveWorkbook.Close SaveChanges:=False
#check
