' "X72506.xls", the macro workbook the module opens from its installation
' folder to set and read Excel's current folder:
'   Run "X72506.xls!module1.ChangeRep", folder
'   folder = Run("X72506.xls!module1.GetRep")
' The macros' source lies in column A of the very hidden sheet "module1",
' one line per row, where Application.Run finds it.
Workbooks.Add -4167   ' xlWBATWorksheet: a workbook of one sheet
ActiveSheet.Name = "X72506"
Range("A1").Value = "Macros du module D72506 : ne pas modifier ce classeur."
Sheets.Add After:=Sheets(1)
ActiveSheet.Name = "module1"
Range("A1").Value = "Sub ChangeRep(ByVal rep As String)"
Range("A2").Value = "    ChDir rep"
Range("A3").Value = "End Sub"
Range("A5").Value = "Function GetRep() As String"
Range("A6").Value = "    GetRep = CurDir"
Range("A7").Value = "End Function"
ActiveSheet.Visible = 2   ' xlSheetVeryHidden
ActiveWorkbook.SaveAs Filename:="X72506.xls"
