"""The Python package as a player uses it: a question played, verdicts and
failures read, lists, statements and their limits, the thread rule."""

import threading

import pytest

import d72506

RIGHT_601 = 'Range("D1").Value = "\'09854895"'
WRONG_601 = 'Range("D1").Value = "09854895"'


@pytest.fixture
def module():
    with d72506.Module() as m:
        yield m


@pytest.fixture
def question_601(module, tmp_path):
    d72506.deliver(601, tmp_path)
    excel, window = module.InitQuestion(601, tmp_path)
    yield module, excel
    module.Fermer()
    module.Quitter(excel, window)


def test_version_is_the_librarys():
    assert d72506.version() == "1.0.0"


def test_each_answer_gets_its_code(question_601):
    module, excel = question_601
    excel.run(RIGHT_601)
    module.TestePoint()
    assert (module.CauseErreur, module.ErreurGenerale, module.BravoNuance) == ("", False, False)
    assert module.Complement == []
    excel.run(WRONG_601)
    module.TestePoint()
    assert module.CauseErreur == "C"


def test_quitter_takes_the_modules_own_excel_away(module, tmp_path):
    d72506.deliver(601, tmp_path)
    excel, window = module.InitQuestion(601, tmp_path)
    assert excel is not None and window != 0
    module.Fermer()
    assert module.Quitter(excel, window) == (None, 0)


def test_a_failed_member_raises_with_number_source_and_description(module, tmp_path):
    with pytest.raises(d72506.D72506Error) as caught:
        module.CauseErreur
    assert caught.value.number == 91
    assert caught.value.description == "Object variable or With block variable not set"
    with pytest.raises(d72506.D72506Error) as caught:
        module.InitQuestion(600, tmp_path)
    assert caught.value.number == 91
    assert caught.value.source.startswith("DLL D72506 - CLASSE Module\n\r - SERVICE Nettoyage - OBJET ")
    # The Excel the module started before failing comes with the error, to be quit.
    assert module.Quitter(caught.value.application, caught.value.window) == (None, 0)


def test_a_released_module_refuses_calls_instead_of_crashing():
    module = d72506.Module()
    module.release()
    with pytest.raises(d72506.D72506Error) as caught:
        module.TestePoint()
    assert caught.value.status == d72506.E_POINTER


def test_work_files_list_a_questions_files():
    assert d72506.work_files(601) == [("07250601.xls", "Thor International.xls", False)]
    assert d72506.work_files(614)[0] == ("07250614.xlt", "Thor.xlt", True)
    with pytest.raises(d72506.D72506Error) as caught:
        d72506.work_files(616)
    assert caught.value.number == 5


def test_statements_keep_variables_and_fail_by_kind(question_601):
    _, excel = question_601
    excel.run("total = 40 + 2")
    assert excel.evaluate("total & \" \" & LCase(\"DÉTAIL\")") == "42 détail"
    with pytest.raises(d72506.D72506Error) as caught:
        excel.run('Worksheets("Absente").Select')
    assert caught.value.number == 9 and "line 1" in caught.value.description
    with pytest.raises(d72506.D72506Error) as caught:
        excel.run("If Then")
    assert caught.value.status == d72506.E_STATEMENTS
    with pytest.raises(d72506.D72506Error) as caught:
        excel.run("For i = 1 To 2 Step 0\nNext", limits=(0.2, 0))
    assert caught.value.status == d72506.E_BUDGET


def test_objects_stay_on_the_thread_that_made_them(module):
    outcome = {}

    def elsewhere():
        try:
            module.TestePoint()
        except d72506.D72506Error as error:
            outcome["status"] = error.status

    thread = threading.Thread(target=elsewhere)
    thread.start()
    thread.join()
    assert outcome["status"] == d72506.E_WRONG_THREAD


def test_codes_and_their_messages_are_available():
    english = d72506.codes(601, "en")
    assert d72506.Code("", False, d72506.message(601, False, "", "en")) in english
    assert any(c.code == "AM" and c.erreur_generale for c in english)
    assert all(c.message for c in english)
    assert d72506.message(601, False, "C", "fr") != d72506.message(601, False, "C", "en")
    with pytest.raises(d72506.D72506Error) as caught:
        d72506.codes(600)
    assert caught.value.number == 5
