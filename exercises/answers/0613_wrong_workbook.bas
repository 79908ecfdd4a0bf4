' Question 613: saved as an ordinary workbook Thor.xls in the working folder.
' expect: A
ActiveWorkbook.SaveAs Filename:="Thor.xls"
ActiveWorkbook.Close
#check
